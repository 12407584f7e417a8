# Independent reading of TCX files for the test data list: run once, results in ../README.md.
# python3 tcx_reading.py ../tracks/*.tcx
import sys, math, xml.etree.ElementTree as ET
def local(t): return t.rsplit('}',1)[-1]
def hubeny(a,b):
    r=math.pi/180; p1,l1,p2,l2=a[0]*r,a[1]*r,b[0]*r,b[1]*r
    dp,dl,mu=p1-p2,l1-l2,(p1+p2)/2
    w=math.sqrt(1-0.00669437999019758*math.sin(mu)**2); m=6335439.32729246/w**3; n=6378137/w
    return math.hypot(dp*m, dl*n*math.cos(mu))
for fn in sys.argv[1:]:
    pts=[]
    for el in ET.parse(fn).iter():
        if local(el.tag)!='Trackpoint': continue
        kids={local(c.tag):c for c in el}
        if 'Position' not in kids: continue
        pos={local(c.tag):c.text for c in kids['Position']}
        pts.append((float(pos['LatitudeDegrees']),float(pos['LongitudeDegrees']),kids['Time'].text if 'Time' in kids else None))
    d=sum(hubeny(pts[i-1],pts[i]) for i in range(1,len(pts)))
    print(fn.split('/')[-1], len(pts), pts[0][2], pts[-1][2], '%.9f'%(d/1000), sep='\t')
